# Files of src/ui, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND SCREEN_SOURCES src/ui/GradientWindow.cpp)
list(APPEND SCREEN_SOURCES src/ui/ReportPreview.cpp)
list(APPEND SCREEN_SOURCES src/ui/AmountEditFilter.cpp)
list(APPEND SCREEN_SOURCES src/ui/ArrowIcon.cpp)
list(APPEND SCREEN_SOURCES src/ui/MainCategoryPicker.cpp)
list(APPEND SCREEN_SOURCES src/ui/GuardedPages.cpp)
list(APPEND SCREEN_SOURCES src/ui/Fonts.cpp)
list(APPEND SCREEN_SOURCES src/ui/EscapeLeaves.cpp)
