# Opens a database whose seven files come from the fuzzer and uses it.
lumivar_fuzz_target(geodb)
