# widl writes the type library's default values into the C++ header as default arguments,
# which C++ rejects for pointer parameters (LONG *q = 80). The defaults live in the type
# library, where callers find them, so they are dropped from the parameter lines here.
s/^( +[A-Za-z_][A-Za-z0-9_]* +\**[A-Za-z_][A-Za-z0-9_]*) = [^,)]+/\1/
