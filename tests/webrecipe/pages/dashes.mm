Some mail header text before the recipe

---------- Recipe via Meal-Master (tm) v8.02
 
      Title: Quick Beer Bread
 Categories: Breads, None
      Yield: 1 loaf
 
      3 c  Self-rising flour
      1 cn Beer (12 oz)
      3 T  Sugar
 
-----------------------------TOPPING-----------------------------
      2 tb Butter; melted
 
Mix flour, beer and sugar. Pour into a greased loaf pan. Drizzle
with butter and bake at 350 F for 1 hour.
 
-----
