// fontconfig keeps its configuration and caches for the life of the process and frees them
// only on an explicit FcFini, which the font layer never calls; the leak check at the end of a
// fuzzing run would report them after every target that measures or draws text.

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
