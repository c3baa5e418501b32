list(APPEND KYDORU_SOURCES display/displaymode.cpp display/modes.cpp)
