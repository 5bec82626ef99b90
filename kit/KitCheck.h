// `dialnest-kit check`: reads every provider file of a kit with the program's own readers,
// watching them line by line, and reports what they make of it.
#pragma once

class KitFolder;
class KitReport;

// Adds to `report` what the program would see in the kit in `folder`, which must be a folder
// whose paths fit the program's path buffers (KitFolder::PathsFit).
void CheckKit(KitFolder& folder, KitReport* report);
