# Sources of this subsystem, added as its exports are built.
