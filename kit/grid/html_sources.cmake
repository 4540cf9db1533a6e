# HTML export of the grid: a document builder over a plain description of the grid, and the
# export of a GridView through it.
target_sources(velistra_grid PRIVATE html_document.cpp html_document.h html_export.cpp html_export.h)
