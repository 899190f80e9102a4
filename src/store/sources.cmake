# Files of src/store, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES
    src/store/Database.cpp
    src/store/Schema.cpp
    src/store/Amount.cpp
    src/store/LedgerOps.cpp
)
list(APPEND SCREEN_SOURCES src/store/DataFileSaved_Unit.cpp)
list(APPEND CORE_SOURCES src/store/Backup.cpp)
list(APPEND CORE_SOURCES src/store/BackupRotation.cpp src/store/AutoBackup.cpp)
