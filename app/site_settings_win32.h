#pragma once
// Start-up: the search site named by quenlit.ini beside the program.

// Reads quenlit.ini from the program's folder, if there is one, and points
// the search worker at the site it names. A file that is there but cannot be
// read or is malformed gets one message box saying what is wrong, and the
// program goes on with the default site. Runs once, before the main window
// opens.
void load_site_settings();
