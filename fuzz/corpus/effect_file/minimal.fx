parameter float A unused
technique T
state ZFunc Less
vertex
x
end
fragment
y
end
