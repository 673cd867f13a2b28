# A malformed profile: line 3 names a feature kind that does not exist.
base sim
widget Thing 1
