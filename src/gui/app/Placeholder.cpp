// The main window arrives with its own change; until then the program shows an empty window.
