# Files of src/statistics, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND CORE_SOURCES src/statistics/CategorySummary.cpp)
list(APPEND SCREEN_SOURCES
    src/statistics/StatisticsWidgets.cpp
    src/statistics/StatisticsForm.cpp
    src/statistics/Month_Unit.cpp
    src/statistics/Year_Unit.cpp
)
list(APPEND CORE_SOURCES src/statistics/CategoryExport.cpp)
list(APPEND OUTPUT_SOURCES src/statistics/CategoryExportBook.cpp)
list(APPEND SCREEN_SOURCES src/statistics/StatisticsReport.cpp)
