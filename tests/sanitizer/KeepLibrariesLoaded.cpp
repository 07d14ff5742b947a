// Linked into the tests of the sanitizer build only. Qt unloads its plugins and libVLC its
// modules before the process ends, and Mesa its driver; LeakSanitizer, which looks at what is
// left at exit, then names memory they kept only as "<unknown module>", and no suppression can
// name it. Keeping every library mapped lets each leak of theirs carry its library's name.
// The test executable's definition takes the place of the C library's for every library
// loaded into it.
extern "C" int dlclose(void*)
{
    return 0;
}
