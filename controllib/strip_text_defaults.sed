# widl cannot store a text default on a by-reference text parameter ("string default value
# applied to non-string type"); its copy of the IDL has those defaults removed, and the type
# library tool adds them back from the original.
s/, *defaultvalue\("[^"]*"\)( *\] *BSTR *\*)/\1/g
