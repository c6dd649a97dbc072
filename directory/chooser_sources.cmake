# The About box and help, the file type filters and the directory chooser
# (directory list box, drive combo, their pictures).
list(APPEND APP_PORTABLE_SOURCES
    common/version_text.cpp
    directory/chooser/directory_path.cpp
)
list(APPEND APP_WIN32_SOURCES
    common/help.cpp
    common/about_dialog.cpp
    app/file_type_dialog.cpp
    directory/chooser/file_type_list.cpp
    directory/chooser/transparent_image.cpp
    directory/chooser/drive_combo.cpp
    directory/chooser/directory_list_box.cpp
)
