# Files of src/analysis, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND SCREEN_SOURCES src/analysis/Year_Month_Unit.cpp)
list(APPEND SCREEN_SOURCES src/analysis/CashDetail_Unit.cpp)
list(APPEND CORE_SOURCES src/analysis/DetailQuery.cpp)
list(APPEND CORE_SOURCES src/analysis/YearAnalysis.cpp)
