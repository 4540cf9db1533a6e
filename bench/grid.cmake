# The grouping grid: building rows, re-sorting, deleting, expanding, focusing, memory per row.
velistra_bench(grid_bench SOURCES grid_bench.cpp LIBS velistra_grid velistra_store)
