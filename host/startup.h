// The two program-specific start-up steps; every program linking the host defines them.
#pragma once

// Gives every module global its default and registers the collector's roots.
void qvInit();
// Creates the application object and registers it through c_App::m_new.
void qvCreateApp();
