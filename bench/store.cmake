velistra_bench(store_bench SOURCES store_bench.cpp LIBS velistra_store)
