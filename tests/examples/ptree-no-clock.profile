# The built-in camera without its clock frequency.
include sim
remove .system.info.fpa.clockFrequency
