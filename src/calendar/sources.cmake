# Files of src/calendar, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES src/calendar/MonthCalendar.cpp)
list(APPEND SCREEN_SOURCES src/calendar/RM_Main_Unit.cpp src/calendar/CalendarWidgets.cpp)
