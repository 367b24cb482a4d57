// The font library under Qt keeps a few hundred bytes of its configuration
// unreleased for the life of the process; that is the library's own, not a
// leak of ours, so LeakSanitizer (in the sanitizer build) passes over it in
// this test program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
