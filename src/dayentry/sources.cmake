# Files of src/dayentry, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES src/dayentry/DayBook.cpp)
list(APPEND SCREEN_SOURCES src/dayentry/CashRecord_Unit.cpp)
