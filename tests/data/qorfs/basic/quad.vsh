vertex shader
