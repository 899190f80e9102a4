# Files of src/statistics, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND SCREEN_SOURCES src/statistics/Month_Unit.cpp)
list(APPEND SCREEN_SOURCES src/statistics/Year_Unit.cpp)
