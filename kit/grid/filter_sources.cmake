# Filtering: the filter tree, its evaluation and description, filter files, the column drop-down,
# the filter panel, the custom filter and filter builder dialogs, and the controller that attaches
# them to a GridView.
target_sources(velistra_grid PRIVATE
    filter_criteria.cpp filter_criteria.h
    filter_eval.cpp filter_eval.h
    filter_description.cpp filter_description.h
    filter_file.cpp filter_file.h
)
