# Sources of this subsystem, added as its exports are built.
list(APPEND KYDORU_SOURCES
  effects/pause.cpp effects/dispatch.cpp effects/interlace.cpp effects/wipes.cpp effects/slides.cpp
  effects/reveals.cpp effects/drips.cpp effects/blocks.cpp effects/squeezes.cpp effects/snapshot.cpp
  effects/whiteouts.cpp)
