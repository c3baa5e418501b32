# Sources of this subsystem, added as its exports are built.
list(APPEND KYDORU_SOURCES
     device/linesettings.cpp device/serial.cpp
     device/identify.cpp device/miniport.cpp device/descriptor.cpp
     device/physicaldrive.cpp device/diskid.cpp
     device/procspeed.cpp)
