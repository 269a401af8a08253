# The element scanner over a stream: bytes in, elements out, to the end.
lumivar_fuzz_target(fuzz_tagscan tagscan_fuzz.cpp)
