# Sources of this subsystem, added as its exports are built.
list(APPEND KYDORU_SOURCES shell/shellwindows.cpp shell/elements.cpp shell/altdesktop.cpp shell/keylocks.cpp shell/power.cpp
     shell/applets.cpp)
