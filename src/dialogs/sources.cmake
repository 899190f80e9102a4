# Files of src/dialogs, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND SCREEN_SOURCES src/dialogs/MsgShow_Unit.cpp)
list(APPEND SCREEN_SOURCES src/dialogs/InputPW_Unit.cpp)
list(APPEND SCREEN_SOURCES src/dialogs/mrYesNo_Unit.cpp)
list(APPEND SCREEN_SOURCES src/dialogs/Help_Unit.cpp)
list(APPEND SCREEN_SOURCES src/dialogs/DialogPrompts.cpp)
list(APPEND SCREEN_SOURCES src/dialogs/FormHelpers.cpp)
