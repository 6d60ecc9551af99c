// The language resource library stand-in w5lresax (first part): a module that names its
// language; its strings and dialog templates follow with the foundation.
extern "C" __attribute__((visibility("default"))) const char* w5lres_Language() { return W5LRES_LANGUAGE; }
