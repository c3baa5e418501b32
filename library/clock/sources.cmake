# Sources of the desktop clock: its record, the face, the surface, the window and the export.
list(APPEND KYDORU_SOURCES clock/state.cpp clock/rotor.cpp clock/frame.cpp clock/surface.cpp clock/window.cpp
     clock/session.cpp)
