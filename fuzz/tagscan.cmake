# The element scanner over a stream: bytes in, elements out, to the end.
lumivar_fuzz_target(tagscan)
