# Tests of filtering: the filter tree on its own, and the filter facilities on a grid.
set(FILTER_CORE_SOURCES
    ${PROJECT_SOURCE_DIR}/kit/grid/filter_criteria.cpp ${PROJECT_SOURCE_DIR}/kit/grid/filter_eval.cpp
    ${PROJECT_SOURCE_DIR}/kit/grid/filter_description.cpp ${PROJECT_SOURCE_DIR}/kit/grid/filter_file.cpp
    ${PROJECT_SOURCE_DIR}/kit/grid/collation.cpp)
velistra_qttest(tst_filter_core SOURCES tst_filter_core.cpp ${FILTER_CORE_SOURCES}
    LIBS velistra_text velistra_dataset velistra_store velistra_dirgen Qt6::Widgets)
