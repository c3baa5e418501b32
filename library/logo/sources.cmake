# The logo show: window and loop, picture loader, cube scene.
list(APPEND KYDORU_SOURCES logo/show.cpp logo/window.cpp logo/scene.cpp logo/picture.cpp logo/picturemath.cpp)
# The show reads its two pictures from the current directory; they ship beside the DLL.
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/logo/pictures/ky.jpg ${CMAKE_CURRENT_SOURCE_DIR}/logo/pictures/kydoru.jpg
        DESTINATION .)
