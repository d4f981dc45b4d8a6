add_qt_test(tst_cautosizelabel SOURCES tst_cautosizelabel.cpp LIBS common)
