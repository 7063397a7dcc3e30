// Placeholder translation unit for a library with no classes yet.
