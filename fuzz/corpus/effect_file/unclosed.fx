technique T
vertex
x
