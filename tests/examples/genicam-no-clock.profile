# The built-in device without its clock frequency.
base sim
remove MfgClockFrequency
