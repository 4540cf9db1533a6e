# Filtering: column filters on and off, the distinct values of a column, a keystroke in the
# filter builder, each against B_scan.
velistra_bench(filter_bench SOURCES filter_bench.cpp LIBS velistra_grid velistra_store Qt6::Test)
