# Files of src/spreadsheet, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
