# Files of src/categories, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES src/categories/CategorySettings.cpp)
list(APPEND SCREEN_SOURCES src/categories/CashSet_Unit.cpp)
