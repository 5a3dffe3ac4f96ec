// The stand-in's archive only needs to exist; the program beside it is the stand-in itself.
