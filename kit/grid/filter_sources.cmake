# Filtering: the filter tree, its evaluation and description, filter files, the column drop-down,
# the filter panel, the custom filter and filter builder dialogs, and the controller that attaches
# them to a GridView.
target_sources(velistra_grid PRIVATE
    filter_criteria.cpp filter_criteria.h
    filter_eval.cpp filter_eval.h
    filter_description.cpp filter_description.h
    filter_file.cpp filter_file.h
    filter_drop_down.cpp filter_drop_down.h
    filter_panel.cpp filter_panel.h
    filter_custom_dialog.cpp filter_custom_dialog.h
    filter_builder.cpp filter_builder.h
    filter_builder_dialog.cpp filter_builder_dialog.h
    filter_controller.cpp filter_controller.h
)
