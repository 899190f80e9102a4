# Files of src/ledgers, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES
    src/ledgers/Big5.cpp
    src/ledgers/CnDES.cpp
    src/ledgers/Crypt32.cpp
    src/ledgers/PublicFunction.cpp
    src/ledgers/LedgerDirectory.cpp
    src/ledgers/LedgerAdmin.cpp
)
list(APPEND SCREEN_SOURCES
    src/ledgers/SelectUser_Unit.cpp
    src/ledgers/KeyPW_Unit.cpp
    src/ledgers/SelectYear_Unit.cpp
    src/ledgers/NewUser_Unit.cpp
    src/ledgers/PasswordChange_Unit.cpp
)
