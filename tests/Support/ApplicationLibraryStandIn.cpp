// A stand-in for the application library: its entry writes what it was given into
// "<root>/entry" and answers 42. Built once more without the entry.
#include <fstream>
#include <string>

#ifndef WITHOUT_ENTRY
extern "C" __attribute__((visibility("default"))) int corvelle_run_application(const char* root,
                                                                                const char* executable) {
    std::ofstream(std::string(root) + "/entry") << root << "\n" << executable << "\n";
    return 42;
}
#else
extern "C" __attribute__((visibility("default"))) int corvelle_run_something_else() { return 0; }
#endif
