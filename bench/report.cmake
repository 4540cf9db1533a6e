velistra_bench(report_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/report_bench.cpp LIBS velistra_report velistra_store)
