#pragma once

namespace platform {

// Freed memory of up to tens of megabytes is kept for the next allocation
// instead of being handed back to the system at once. Building a level
// allocates and frees pictures, their mipmap levels and the driver's copies
// of them, several megabytes each; handed back and asked for again, every
// page is faulted in and cleared anew, which cost a third of the time of
// building the castle. Called once, at the start of the program, before
// any thread is started.
void keepFreedMemoryForReuse();

}  // namespace platform
