# Calibration files: the text scanners and the readers of outside input.
lumivar_fuzz_target(caltext)
lumivar_fuzz_target(calfile)
