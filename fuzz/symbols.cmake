# Landmark and symbol files: the readers of outside input behind the
# landmark layer and the symbol repository.
lumivar_fuzz_target(landmarkfile)
lumivar_fuzz_target(symbolfile)
