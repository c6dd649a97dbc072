# Printing a comparison: the portable page layout and row plan, and the Win32
# job, its pages, the progress dialog and the Print command.
list(APPEND APP_PORTABLE_SOURCES
    printing/print_layout.cpp
)
list(APPEND COMPARE_WINDOW_WIN32_SOURCES
    printing/print_progress_dialog.cpp
    printing/page_drawing.cpp
    printing/print_job.cpp
    printing/print_comparison.cpp
)
