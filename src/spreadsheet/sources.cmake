# Files of src/spreadsheet, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
list(APPEND OUTPUT_SOURCES src/spreadsheet/Workbook.cpp)
list(APPEND OUTPUT_SOURCES src/spreadsheet/WorkbookExport.cpp)
