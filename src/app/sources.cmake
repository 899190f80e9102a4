# Files of src/app, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES src/app/InstanceLock.cpp)
list(APPEND SCREEN_SOURCES src/app/Program.cpp src/app/AutoBackupWindow.cpp)
list(APPEND SCREEN_SOURCES src/app/ApplicationSetup.cpp)
