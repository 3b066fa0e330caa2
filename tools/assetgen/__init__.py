"""Generators for every picture, font and sound in the game's data folder."""
