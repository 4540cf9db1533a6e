velistra_bench(html_bench SOURCES html_bench.cpp LIBS velistra_grid velistra_store)
