# Files of src/recurring, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND SCREEN_SOURCES src/recurring/FirmCash_Unit.cpp)
