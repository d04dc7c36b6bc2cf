// Makes finding the running instance and becoming it one step across
// processes: two starts at the same moment cannot both become it.
#pragma once

class StartGate {
public:
    // Waits until no other start of the program is between its search for
    // a running instance and its main window's creation. A first instance
    // busy in its start-up does not keep a later one waiting for ever.
    static void Enter();
    // This start's main window can be found now, or it will make none.
    static void LetOthersIn();
};
