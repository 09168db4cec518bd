[playlist]
File1=http://a.cz/
Title1=Rádio Café
Length1=-1
Title2=Bez souboru
File3 = https://b.cz/ 
NumberOfEntries=3
Version=2
