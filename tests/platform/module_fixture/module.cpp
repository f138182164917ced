// A loadable module with one export, for the loader's tests.
extern "C" __attribute__((visibility("default"))) int fixtureAnswer() {
    return 42;
}
