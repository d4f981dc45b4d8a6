list(APPEND COMMON_SOURCES sizetext.h sizetext.cpp packagefilename.h packagefilename.cpp)
# The 7-Zip client objects. The fallback library path is the build's choice, so it reaches
# this library as a definition instead of through the launcher's generated header.
list(APPEND COMMON_SOURCES
    sevenzipabi.h
    sevenziplibrary.h sevenziplibrary.cpp
    cinfilestream.h cinfilestream.cpp
    coutfilestream.h coutfilestream.cpp
    carchiveopencallback.h carchiveopencallback.cpp
    carchiveextractcallback.h carchiveextractcallback.cpp
    archiveitempath.h archiveitempath.cpp
    packageextractor.h packageextractor.cpp
    extractreporter.h)
set_source_files_properties(sevenziplibrary.cpp PROPERTIES
    COMPILE_DEFINITIONS "LUNMERE_SEVENZIP_FALLBACK=\"${LAUNCHER_7Z_LIBRARY}\"")
