# A malformed profile: the value does not fit its type on line 3.
include sim
.extra.value u8 300
