# Element scanner, matrix access and curve fits of the support libraries.
lumivar_benchmark(support_bench SOURCES support_bench.cpp)
