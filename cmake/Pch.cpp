// The one source of the targets that hold a precompiled header for the others (see CMakeLists.txt).
