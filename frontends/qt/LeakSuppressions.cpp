// Leak reports the sanitizer build of a program that paints with Qt leaves out: fontconfig keeps
// its font cache until the process ends. Linked into the window front end and its tests only;
// without the sanitizer nobody calls it.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
