add_qt_test(tst_cautosizelabel SOURCES tst_cautosizelabel.cpp LIBS common_widgets)
add_qt_test(tst_textfit SOURCES tst_textfit.cpp LIBS common_widgets)
