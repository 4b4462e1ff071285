SHOWN := 1;
