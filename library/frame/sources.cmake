list(APPEND KYDORU_SOURCES frame/entry.cpp frame/state.cpp frame/tablecheck.cpp frame/dibheader.cpp
     frame/systemlibrary.cpp frame/lazycalls.cpp)
