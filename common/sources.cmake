list(APPEND COMMON_SOURCES cautosizelabel.h cautosizelabel.cpp)
