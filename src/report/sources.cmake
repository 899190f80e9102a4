# Files of src/report, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND OUTPUT_SOURCES src/report/Report.cpp)
list(APPEND OUTPUT_SOURCES src/report/SaveFolder.cpp)
