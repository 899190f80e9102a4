# Files of src/recurring, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES src/recurring/RecurringPlan.cpp)
list(APPEND SCREEN_SOURCES src/recurring/FirmCash_Unit.cpp)
