# The contact grid's configuration (cxGrid1).
target_sources(velistra_ui_main PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/contact_grid.cpp ${CMAKE_CURRENT_LIST_DIR}/contact_grid.h)
