// The program: its one application object (the framework's entry point
// runs it).
#include "app/KestrixApp.h"

CKestrixApp theApp;
