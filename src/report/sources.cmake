# Files of src/report, by layer (core: no QtGui/QtWidgets; output: report and spreadsheet; screens).
