# The HTML page builder on hand-made grid descriptions, and the export of a real grid.
velistra_gtest(tst_html_document SOURCES tst_html_document.cpp html_golden.h LIBS velistra_grid)
velistra_qttest(tst_html_export SOURCES tst_html_export.cpp html_golden.h LIBS velistra_grid)
