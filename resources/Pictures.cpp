// The pictures come in through qt_add_resources, whose compiled resource travels in an object
// library of its own; CMake wants one source in the static library itself, and this is it.
