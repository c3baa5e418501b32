list(APPEND KYDORU_SOURCES display/displaymode.cpp display/modes.cpp)
list(APPEND KYDORU_SOURCES display/transparency.cpp display/flashing.cpp)
