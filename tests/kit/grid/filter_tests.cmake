# Tests of filtering: the filter tree on its own, and the filter facilities on a grid.
velistra_qttest(tst_filter_core SOURCES tst_filter_core.cpp
    LIBS velistra_grid velistra_store velistra_dirgen)
velistra_qttest(tst_filter_grid SOURCES tst_filter_grid.cpp LIBS velistra_grid)
