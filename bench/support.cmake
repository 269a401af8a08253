# Element scanner, matrix access and curve fits of the support libraries.
lumivar_benchmark(bench_support SOURCES support_bench.cpp)
