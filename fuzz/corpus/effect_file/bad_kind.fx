parameter colour A
