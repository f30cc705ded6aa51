// The driver of the whole program, run once by the installer form's creation: finds the
// folders, makes the working copy, reads the package header, and ends either in an error
// message and the end of the program, or with the form ready to be shown.
#pragma once

class TInstallerForm;

void runStartupSequence(TInstallerForm& form);
